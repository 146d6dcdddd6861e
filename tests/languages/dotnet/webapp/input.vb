Imports Billing.Core

Module Program

    Sub Main()
        Dim customer As New Customer(1, "Smith")
        customer.Save()
        customer.Touch()
        Report(customer) : Console.ReadLine()
    End Sub

    Private Sub Report(ByVal entity As Entity)
        Console.WriteLine(entity.Describe())
    End Sub

End Module
